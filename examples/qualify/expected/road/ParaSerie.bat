echo off
SET XML_Root=T:\003\Flow\Transfer
SET XML_JobName=Job_4711
SET KolpVers=046
SET PathBasis=T:\EDC21\MX21K47\dab
SET FileBasis=MX21K47_01
SET PathFreig=T:\EDC21\MX21K47\0281020471
SET FileFreig=MX21K47_02
SET IndexECUM=07

call I:\Programme\Tolmek\Freigabe\Tools\Kolpator\%KolpVers%\ToolStart.bat %1 

echo.
echo Bearbeitung beendet
echo.
pause
exit
